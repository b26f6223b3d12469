#pragma once

#include "hbd/core_configuration/details/global_configuration.hpp"
#include "hbd/core_configuration/details/profile.hpp"
#include "zunto/filesystem/file_identity.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace hbd::core_configuration {

// The backend configuration file in memory: read once by the constructor, edited in place, and
// written back to the user configuration file by sync_save_to_file. Used from one thread at a time.
class core_configuration final {
public:
  // A larger file is a parse error.
  static constexpr std::size_t maximum_file_size = 32 * 1024 * 1024;

  // Reads the file. Never throws because of the file: an absent file is passed over quietly, an
  // unreadable one is logged; either way the model keeps its defaults and is not loaded.
  // The file is read only when its owner is the superuser or expected_file_owner.
  core_configuration(const std::string& file_path, std::uint32_t expected_file_owner);

  core_configuration(const core_configuration&) = delete;
  core_configuration& operator=(const core_configuration&) = delete;

  // The file's members as read, with "global" and "profiles" as they are now.
  nlohmann::json to_json() const;
  // The text of to_json() as a save writes it, and how deep it nests.
  std::pair<std::string, std::size_t> to_text() const;

  // Backs up today's file, prunes old backups and writes to_json() to the user configuration file
  // (0600, its folder 0700), returning once the file is in place. Throws std::runtime_error when
  // the file was not written. A model that was not loaded never replaces an existing file, since
  // that file holds what the user wrote and this model does not: it may only create the file, and
  // then go on saving the file it made; where the path cannot be reached, the error says why.
  // A file that would not load again (nested too deep, larger than maximum_file_size) is refused
  // before anything is written. A file that is not the one this model read or last wrote
  // (edited since) is first copied aside into the backups folder. A symbolic link at the path
  // stays: the file it leads to is replaced. Returns the text written.
  std::string sync_save_to_file();

  // Appends "New profile", not selected.
  void push_back_profile();
  // Nothing when the index is out of range or only one profile is left.
  void erase_profile(std::size_t index);

  // True only when the file existed, passed the owner check and was read without an error.
  bool is_loaded() const { return loaded_; }

  const details::global_configuration& get_global_configuration() const { return global_configuration_; }
  details::global_configuration& get_global_configuration() { return global_configuration_; }

  // Never empty. Profiles may be changed in place; the list changes only through the members here.
  std::span<const details::profile> get_profiles() const { return profiles_; }
  std::span<details::profile> get_profiles() { return profiles_; }

  // The first profile marked selected, else the first profile.
  const details::profile& get_selected_profile() const;
  details::profile& get_selected_profile();
  // Marks only the profile at the index as selected; nothing when out of range.
  void select_profile(std::size_t index);

  // Copies the user configuration file to today's backup unless that backup exists.
  void make_backup_file();
  // Leaves the 20 backups with the greatest names, and removes the temporary files of copies into
  // the backups folder that were killed part way.
  void remove_old_backup_files();
  // Today's local date as YYYYMMDD.
  static std::string make_current_local_yyyymmdd_string();

private:
  void read_file(const std::string& file_path, std::uint32_t expected_file_owner);
  void read_json(std::string text);
  // Why this model may not write the user configuration file; nothing when it may.
  std::optional<std::string> refusal_to_write(const std::string& file_path) const;
  void keep_changed_file_aside(const std::string& file_path) const;
  // Throws zunto::json::depth_error when a saved text nesting this deep would not load again.
  static void throw_when_too_deep(std::size_t depth);
  nlohmann::json json_;
  bool loaded_ = false;
  // Set once this model has written the user configuration file, which it may then overwrite.
  bool saved_ = false;
  // The file as this model read or last wrote it.
  std::optional<zunto::filesystem::file_identity> file_identity_;
  details::global_configuration global_configuration_;
  std::vector<details::profile> profiles_;
};

} // namespace hbd::core_configuration
