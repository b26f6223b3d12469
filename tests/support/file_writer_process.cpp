#include "support/file_writer_process.hpp"

namespace hbd_test {

file_writer_process::file_writer_process(const std::vector<std::string>& arguments)
    : program_(HBD_FILE_WRITER_PROCESS, arguments) {}

bool file_writer_process::run(const std::vector<std::string>& arguments) {
  file_writer_process process(arguments);
  return process.wait();
}

} // namespace hbd_test
