#include "input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "objects/source.h"

namespace rplrun {

namespace {

// Closes a descriptor that this module opened.
struct Descriptor {
  int fd;
  bool owned;
  ~Descriptor() {
    if (owned && fd >= 0) close(fd);
  }
};

bool failed(std::string& error, const char* what, int number) {
  error = std::string(what) + ": " + std::strerror(number);
  return false;
}

}  // namespace

bool read_input_file(const std::string& path, std::string& bytes, std::string& error) {
  const bool standard_input = path == "-";
  const Descriptor in{standard_input ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC),
                      !standard_input};
  if (in.fd < 0) return failed(error, "cannot open", errno);
  struct stat info {};
  if (fstat(in.fd, &info) != 0) return failed(error, "cannot read", errno);
  if (S_ISDIR(info.st_mode)) return failed(error, "cannot read", EISDIR);
  bytes.clear();
  // A regular file says how long it is: one allocation, no doubling.
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    if (static_cast<std::uint64_t>(info.st_size) > max_input_bytes)
      return failed(error, "cannot read", EFBIG);
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(in.fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int number = errno;
      bytes.clear();
      return failed(error, "cannot read", number);
    }
    if (bytes.size() + static_cast<std::size_t>(n) > max_input_bytes) {
      std::string().swap(bytes);
      return failed(error, "cannot read", EFBIG);
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace rplrun
