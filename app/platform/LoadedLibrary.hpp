#pragma once

#include <QLibrary>
#include <QString>

namespace grellan {

// A shared library opened when first needed instead of linked, so start-up does not pay for loading
// it (and its dependencies) before anything uses it. It is never unloaded: objects it made may
// outlive the wrapper.
class LoadedLibrary {
public:
  // Opens `fileName` (a soname such as "libcanberra.so.0"); a missing library only fails resolving.
  explicit LoadedLibrary(const QString& fileName);
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // Points `function` at the library's `symbol`, typed as the header declares it; false, and null,
  // when the library or the symbol is missing.
  template <typename Function>
  bool resolve(Function*& function, const char* symbol) {
    // QFunctionPointer is void (*)(), which converts to and from every function pointer type.
    function = reinterpret_cast<Function*>(library_.resolve(symbol));
    return function != nullptr;
  }

private:
  QLibrary library_;
};

} // namespace grellan
