#include "platform/LoadedLibrary.hpp"

namespace grellan {

LoadedLibrary::LoadedLibrary(const QString& fileName) : library_(fileName) { library_.load(); }

} // namespace grellan
