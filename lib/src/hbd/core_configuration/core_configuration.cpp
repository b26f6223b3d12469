#include "hbd/core_configuration/core_configuration.hpp"

#include "glob/glob.hpp"
#include "hbd/async_file_writer.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "zunto/filesystem/file_identity.hpp"
#include "zunto/filesystem/filesystem.hpp"
#include "zunto/filesystem/scoped_descriptor.hpp"
#include "zunto/filesystem/temporary_file.hpp"
#include "zunto/json/indented_writer.hpp"
#include "zunto/json/object_copy.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/osx/process_info.hpp"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

namespace hbd::core_configuration {

namespace {

constexpr std::size_t maximum_backup_files = 20;

bool owned_by_valid_user(const struct stat& status, std::uint32_t expected_file_owner) {
  return status.st_uid == 0 || status.st_uid == expected_file_owner;
}

// Keeps the process from being ended suddenly for as long as it lives.
class scoped_sudden_termination_disabled final {
public:
  scoped_sudden_termination_disabled() { zunto_osx_process_info_disable_sudden_termination(); }
  ~scoped_sudden_termination_disabled() { zunto_osx_process_info_enable_sudden_termination(); }
  scoped_sudden_termination_disabled(const scoped_sudden_termination_disabled&) = delete;
  scoped_sudden_termination_disabled& operator=(const scoped_sudden_termination_disabled&) = delete;
};

} // namespace

core_configuration::core_configuration(const std::string& file_path, std::uint32_t expected_file_owner)
    : global_configuration_(nlohmann::json::object()) {
  try {
    read_file(file_path, expected_file_owner);
  } catch (const std::exception& e) {
    // Whatever the file holds, the model is built: with what was read before the failure.
    logger::get_logger()->error("parse error in {0}: {1}", file_path, e.what());
    json_ = nlohmann::json::object();
    loaded_ = false;
  }

  if (profiles_.empty()) {
    profiles_.emplace_back(nlohmann::json{{"name", "Default profile"}, {"selected", true}});
  }
}

void core_configuration::read_file(const std::string& file_path, std::uint32_t expected_file_owner) {
  auto logger = logger::get_logger();

  // The owner is checked on the descriptor that is then read, so the file cannot be swapped in
  // between. O_NONBLOCK keeps a FIFO planted at the path from holding up the open.
  zunto::filesystem::scoped_descriptor fd(::open(file_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) {
    const int error = errno;
    struct stat status {};
    if (error == ENOENT || error == ENOTDIR || ::stat(file_path.c_str(), &status) != 0) {
      return; // absent
    }
    // The same messages as for a file that opens: the owner first.
    if (!owned_by_valid_user(status, expected_file_owner)) {
      logger->warn("{0} is not owned by a valid user.", file_path);
    } else {
      logger->error("failed to open {0}", file_path);
    }
    return;
  }

  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) {
    logger->error("failed to open {0}", file_path);
    return;
  }
  if (!owned_by_valid_user(status, expected_file_owner)) {
    logger->warn("{0} is not owned by a valid user.", file_path);
    return;
  }
  if (!S_ISREG(status.st_mode)) {
    logger->error("failed to open {0}", file_path);
    return;
  }
  // A save tells by this whether the file was changed by someone else since.
  file_identity_ = zunto::filesystem::file_identity::of(status);
  auto text = zunto::filesystem::read_all(fd.get(), maximum_file_size);
  if (!text) {
    if (errno == EFBIG) {
      logger->error("parse error in {0}: larger than {1} bytes", file_path, maximum_file_size);
    } else {
      logger->error("failed to open {0}", file_path);
    }
    return;
  }

  try {
    read_json(std::move(*text));
    loaded_ = true;
  } catch (const std::exception& e) {
    logger->error("parse error in {0}: {1}", file_path, e.what());
    json_ = nlohmann::json::object();
  }
}

void core_configuration::read_json(std::string text) {
  std::size_t depth = 0;
  json_ = zunto::json::parse_with_depth_limit(text, zunto::json::default_max_depth, depth);
  // The text is not needed once parsed; a large file should not stay in memory twice.
  std::string().swap(text);

  // A file holding just null reads as empty; any other kind has no members to read or write back.
  if (json_.is_null()) {
    return;
  }
  zunto::json::requires_object(json_, "json");

  if (auto it = json_.find("global"); it != json_.end() && it->is_object()) {
    global_configuration_ = details::global_configuration(*it);
  }
  if (auto it = json_.find("profiles"); it != json_.end() && it->is_array()) {
    profiles_.reserve(it->size());
    // Each profile takes its part of the value over, so the file is never held twice.
    for (auto& p : *it) {
      profiles_.emplace_back(std::move(p));
    }
  }

  // Both are written from the records, so the raw copies would only take up memory.
  json_.erase("global");
  json_.erase("profiles");

  // A save writes some values one level deeper than they were read (a single "to" event becomes a
  // list of one), so a file at the limit could be saved into one that no longer loads.
  if (depth >= zunto::json::default_max_depth) {
    throw_when_too_deep(to_text().second);
  }
}

void core_configuration::throw_when_too_deep(std::size_t depth) {
  if (depth > zunto::json::default_max_depth) {
    throw zunto::json::depth_error(
        fmt::format("JSON is nested deeper than {0} levels once saved", zunto::json::default_max_depth));
  }
}

nlohmann::json core_configuration::to_json() const {
  auto json = zunto::json::object_copy(json_);
  json["global"] = global_configuration_.to_json();
  auto profiles = nlohmann::json::array();
  for (const auto& p : profiles_) {
    profiles.push_back(p.to_json());
  }
  json["profiles"] = std::move(profiles);
  return json;
}

std::optional<std::string> core_configuration::refusal_to_write(const std::string& file_path) const {
  if (loaded_ || saved_) {
    return std::nullopt;
  }
  // Anything at the path, a dangling symbolic link included, counts as the user's.
  struct stat status {};
  if (::lstat(file_path.c_str(), &status) == 0) {
    return fmt::format("core_configuration was not loaded, so it does not replace {0}", file_path);
  }
  const int error = errno;
  if (error == ENOENT) {
    return std::nullopt;
  }
  // The path cannot be reached, as the load found too.
  return fmt::format("core_configuration cannot be saved: failed to open {0}: {1}", file_path,
                     std::generic_category().message(error));
}

std::string core_configuration::sync_save_to_file() {
  scoped_sudden_termination_disabled sudden_termination_disabled;

  const std::string file_path = constants::get_user_core_configuration_file_path().string();
  if (file_path.empty()) {
    throw std::runtime_error("core_configuration cannot be saved: the user configuration directory is unknown");
  }
  if (const auto refusal = refusal_to_write(file_path)) {
    throw std::runtime_error(*refusal);
  }
  // A link (a dotfiles setup) stays a link: the file it leads to is the one replaced.
  const auto target_path = zunto::filesystem::resolve_symbolic_links(file_path);
  if (!target_path) {
    throw std::runtime_error(
        fmt::format("core_configuration cannot be saved: the links at {0} lead nowhere", file_path));
  }

  // Edits could nest a value so deep, or make the file so large, that it would not load again: such
  // a save is refused before anything is touched.
  auto [text, depth] = to_text();
  try {
    throw_when_too_deep(depth);
  } catch (const zunto::json::depth_error& e) {
    throw std::runtime_error(fmt::format("core_configuration cannot be saved: {0}", e.what()));
  }
  if (text.size() > maximum_file_size) {
    throw std::runtime_error(
        fmt::format("core_configuration cannot be saved: the file would be larger than {0} bytes", maximum_file_size));
  }

  make_backup_file();
  remove_old_backup_files();
  keep_changed_file_aside(file_path);

  file_identity_ = async_file_writer::sync_save(*target_path, text, 0700, 0600);
  saved_ = true;
  return text;
}

std::pair<std::string, std::size_t> core_configuration::to_text() const {
  // The text of to_json(), written record by record: building that value first would copy every
  // rule the model holds.
  std::string text;
  // About the size of the file read or last written: the text grows without copying itself. A file
  // too large to read (a sparse one can claim any size) gives no hint.
  if (file_identity_ && file_identity_->size > 0 &&
      static_cast<std::uint64_t>(file_identity_->size) <= maximum_file_size) {
    text.reserve(static_cast<std::size_t>(file_identity_->size) + static_cast<std::size_t>(file_identity_->size) / 8);
  }
  zunto::json::indented_writer writer(text);
  using zunto::json::indented_writer;
  const std::array<indented_writer::member, 2> members{{
      {"global", [&](indented_writer& w) { w.value(global_configuration_.to_json()); }},
      {"profiles",
       [&](indented_writer& w) { w.array(profiles_.size(), [&](std::size_t i) { profiles_[i].write_json(w); }); }},
  }};
  writer.object(json_, members);
  return {std::move(text), writer.depth()};
}

void core_configuration::keep_changed_file_aside(const std::string& file_path) const {
  struct stat status {};
  if (::stat(file_path.c_str(), &status) != 0) {
    return;
  }
  if (file_identity_ == zunto::filesystem::file_identity::of(status)) {
    return;
  }

  // Someone else wrote the file since this model read it (or this model came from another file):
  // those bytes are the user's and are kept under a name that pruning leaves alone.
  const auto& directory = constants::get_user_core_configuration_automatic_backups_directory();
  (void)zunto::filesystem::create_directory_with_intermediate_directories(directory.string(), 0700);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  const auto stem = fmt::format("hobbard_{0:04d}{1:02d}{2:02d}_{3:02d}{4:02d}{5:02d}_changed", local.tm_year + 1900,
                                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  int error = 0;
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const auto name = attempt == 1 ? stem + ".json" : fmt::format("{0}_{1}.json", stem, attempt);
    const auto kept_path = (directory / name).string();
    if (zunto::filesystem::copy_to_new_file(file_path, kept_path, 0600)) {
      logger::get_logger()->warn("{0} was changed since it was read; the changed file is kept as {1}", file_path,
                                 kept_path);
      return;
    }
    error = errno;
    if (error != EEXIST) {
      break;
    }
  }
  // What stands at the path now (a FIFO, a device) may be nothing a copy can keep: it stays.
  const auto reason =
      error == EINVAL ? std::string("it is not a regular file") : std::generic_category().message(error);
  throw std::runtime_error(fmt::format(
      "core_configuration did not replace {0}: it was changed since it was read and could not be kept aside ({1})",
      file_path, reason));
}

void core_configuration::make_backup_file() {
  const auto& file_path = constants::get_user_core_configuration_file_path();
  struct stat status {};
  // No file, no backup. The copy itself refuses what is no regular file (reading it could block or
  // never end), also when the file is swapped for one after this look.
  if (file_path.empty() || ::stat(file_path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return;
  }

  const auto& directory = constants::get_user_core_configuration_automatic_backups_directory();
  if (directory.empty()) {
    return;
  }
  (void)zunto::filesystem::create_directory_with_intermediate_directories(directory.string(), 0700);

  // Never over an existing backup: the first copy of the day is the one kept.
  const auto backup_path = directory / fmt::format("hobbard_{0}.json", make_current_local_yyyymmdd_string());
  if (::lstat(backup_path.c_str(), &status) != 0) {
    (void)zunto::filesystem::copy_to_new_file(file_path.string(), backup_path.string(), 0600);
  }
}

void core_configuration::remove_old_backup_files() {
  const auto& directory = constants::get_user_core_configuration_automatic_backups_directory();
  if (directory.empty()) {
    return;
  }

  // Copies into this folder (today's backup, a changed file kept aside) that a kill cut short.
  const glob::name_pattern copies("hobbard_*.json");
  zunto::filesystem::remove_stale_temporary_files(directory.string(),
                                                  [&](std::string_view name) { return copies.matches(name); });

  // Only the name is a pattern: characters such as "[" in the user's folder names stay literal.
  auto names = glob::glob1(directory, "hobbard_????????.json", false);
  if (names.size() <= maximum_backup_files) {
    return;
  }
  std::sort(names.begin(), names.end());
  for (std::size_t i = 0; i < names.size() - maximum_backup_files; ++i) {
    std::error_code ignored;
    std::filesystem::remove(directory / names[i], ignored);
  }
}

std::string core_configuration::make_current_local_yyyymmdd_string() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return fmt::format("{0:04d}{1:02d}{2:02d}", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void core_configuration::push_back_profile() { profiles_.emplace_back(nlohmann::json{{"name", "New profile"}}); }

void core_configuration::erase_profile(std::size_t index) {
  if (profiles_.size() > 1 && index < profiles_.size()) {
    profiles_.erase(profiles_.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

const details::profile& core_configuration::get_selected_profile() const {
  auto it =
      std::find_if(profiles_.begin(), profiles_.end(), [](const details::profile& p) { return p.get_selected(); });
  return it != profiles_.end() ? *it : profiles_.front();
}

details::profile& core_configuration::get_selected_profile() {
  auto it =
      std::find_if(profiles_.begin(), profiles_.end(), [](const details::profile& p) { return p.get_selected(); });
  return it != profiles_.end() ? *it : profiles_.front();
}

void core_configuration::select_profile(std::size_t index) {
  if (index >= profiles_.size()) {
    return;
  }
  for (std::size_t i = 0; i < profiles_.size(); ++i) {
    profiles_[i].set_selected(i == index);
  }
}

} // namespace hbd::core_configuration
