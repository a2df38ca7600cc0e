// A local X display ":N" listens on the socket /tmp/.X11-unix/XN, on Linux
// also under the same name in the abstract namespace. Remote displays and
// Wayland are trusted as given.
#include "app/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace navorix {

namespace {

bool canConnect(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  ::close(fd);
  return ok;
}

// The display number of a local display name (":0", ":1.0", "unix:2"), or
// an empty text for a remote or unreadable one.
std::string localDisplayNumber(const std::string& display) {
  std::size_t colon = display.rfind(':');
  if (colon == std::string::npos) return {};
  const std::string host = display.substr(0, colon);
  if (!host.empty() && host != "unix") return {};
  std::string number;
  for (std::size_t i = colon + 1; i < display.size() && std::isdigit(static_cast<unsigned char>(display[i]));
       ++i) {
    number += display[i];
  }
  return number;
}

}  // namespace

std::string missingDisplayReason() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0) return {};
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    return "navorix: no display to open the window on (DISPLAY is not set); start it from a desktop session";
  }
  const std::string number = localDisplayNumber(display);
  if (number.empty()) return {};
  const std::string socket = "/tmp/.X11-unix/X" + number;
  if (canConnect(socket, true) || canConnect(socket, false)) return {};
  return std::string("navorix: cannot reach the display ") + display + "; start it from a desktop session";
}

}  // namespace navorix
