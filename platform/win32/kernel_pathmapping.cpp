// The mapping between the system's Windows paths and the host's paths.

#include "platform/win32/PathMapping.h"

#include "platform/win32/CodePage.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <string_view>

namespace vpl::platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool Exists(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0;
}

std::string CurrentHostDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string("/");
}

// The entry of the host directory whose name equals the ANSI name without
// regard to case, or empty.
std::string FindIgnoringCase(const std::string& directory, std::string_view ansiName) {
  DIR* dir = opendir(directory.empty() ? "/" : directory.c_str());
  if (dir == nullptr) return {};
  std::string best;
  while (const dirent* entry = readdir(dir)) {
    const std::string hostName = entry->d_name;
    const std::string ansi = Utf8ToCp1252(hostName);
    if (Cp1252ToUtf8(ansi) != hostName || !Cp1252EqualIgnoringCase(ansi, ansiName)) continue;
    if (best.empty() || hostName < best) best = hostName;
  }
  closedir(dir);
  return best;
}

void DropLastComponent(std::string& hostPath) {
  const size_t slash = hostPath.rfind('/');
  hostPath.erase(slash == std::string::npos ? 0 : slash);
}

// Whether the path starts with a root the host has; strips the drive.
bool StripRoot(std::string_view& path, bool& absolute) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return false;
  if (path.size() >= 2 && path[1] == ':') {
    if (path[0] != 'C' && path[0] != 'c') return false;
    path.remove_prefix(2);
  }
  absolute = !path.empty() && IsSeparator(path[0]);
  return true;
}

}  // namespace

std::string ToHostPath(const char* windowsPath) {
  if (windowsPath == nullptr || *windowsPath == '\0') return {};
  std::string_view path(windowsPath);
  bool absolute = false;
  if (!StripRoot(path, absolute)) return {};
  // Built without its leading slash's final form: "" stands for the root.
  std::string host = absolute ? std::string() : CurrentHostDirectory();
  if (host == "/") host.clear();
  bool lookingUp = true;
  while (!path.empty()) {
    const size_t end = std::min(path.find('\\'), path.find('/'));
    const std::string_view component = path.substr(0, end);
    path.remove_prefix(end == std::string_view::npos ? path.size() : end + 1);
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      DropLastComponent(host);
      lookingUp = host.empty() || Exists(host);
      continue;
    }
    std::string name = Cp1252ToUtf8(component);
    if (lookingUp && !Exists(host + "/" + name)) {
      std::string found = FindIgnoringCase(host, component);
      lookingUp = !found.empty();
      if (lookingUp) name = std::move(found);
    }
    host += "/" + name;
  }
  return host.empty() ? std::string("/") : host;
}

std::string ToWindowsPath(const std::string& hostPath) {
  std::string path = "C:" + Utf8ToCp1252(hostPath);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  if (path.size() == 2) path += '\\';
  return path;
}

}  // namespace vpl::platform
