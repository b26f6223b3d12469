#include "platform/cf/dictionary.hpp"

namespace platform::cf {
namespace {

class stored_dictionary final : public dictionary {
public:
  explicit stored_dictionary(dictionary_entries entries) : entries_(std::move(entries)) {
    for (const auto& [key, value] : entries_) {
      retain(key);
      retain(value);
    }
  }

  ~stored_dictionary() override {
    for (const auto& [key, value] : entries_) {
      release(key);
      release(value);
    }
  }

  const dictionary_entries& entries() const { return entries_; }

private:
  dictionary_entries entries_;
};

} // namespace

dictionary_ref dictionary_create(const dictionary_entries& entries) {
  dictionary_entries kept;
  for (const auto& entry : entries) {
    if (entry.first != nullptr && entry.second != nullptr) {
      kept.push_back(entry);
    }
  }
  return new stored_dictionary(std::move(kept));
}

std::size_t dictionary_get_count(dictionary_ref dictionary) {
  return dictionary == nullptr ? 0 : static_cast<const stored_dictionary*>(dictionary)->entries().size();
}

dictionary_entries dictionary_get_keys_and_values(dictionary_ref dictionary) {
  return dictionary == nullptr ? dictionary_entries{} : static_cast<const stored_dictionary*>(dictionary)->entries();
}

} // namespace platform::cf
