// Starting QuickTime: available when FFmpeg has what the movie writer needs.

#include "platform/quicktime/QuickTimeLibrary.h"
#include "platform/quicktime/quicktime.h"
#include "platform/win32/PathMapping.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <atomic>
#include <cstring>

namespace {

// The version Gestalt answers: 4.0, the version the program asks for.
constexpr int32_t kQuickTimeVersion = 0x04008000;

std::atomic<bool> gStarted{false};

}  // namespace

namespace vpl::platform {

bool OpenQuickTimeLibrary() {
  // QuickTime writes nothing to the console; FFmpeg's notes stay quiet.
  av_log_set_level(AV_LOG_ERROR);
  return avcodec_find_encoder(AV_CODEC_ID_QTRLE) != nullptr &&
         av_guess_format("mov", nullptr, nullptr) != nullptr;
}

FARPROC LookUpQuickTimeFunction(const char* name) {
  // The start and stop calls, which the program looks up in the module.
  static const struct {
    const char* mName;
    FARPROC mFunction;
  } kFunctions[] = {
      {"InitializeQTML", reinterpret_cast<FARPROC>(&InitializeQTML)},
      {"TerminateQTML", reinterpret_cast<FARPROC>(&TerminateQTML)},
      {"Gestalt", reinterpret_cast<FARPROC>(&Gestalt)},
      {"EnterMovies", reinterpret_cast<FARPROC>(&EnterMovies)},
      {"ExitMovies", reinterpret_cast<FARPROC>(&ExitMovies)},
  };
  for (const auto& function : kFunctions) {
    if (name != nullptr && std::strcmp(function.mName, name) == 0) return function.mFunction;
  }
  return nullptr;
}

std::string HostPathOf(const FSSpec* file) {
  if (file == nullptr) return {};
  const std::string windowsPath(reinterpret_cast<const char*>(file->name + 1), file->name[0]);
  return ToHostPath(windowsPath.c_str());
}

}  // namespace vpl::platform

OSErr InitializeQTML(int32_t) {
  if (!vpl::platform::OpenQuickTimeLibrary()) return qtmlUninitialized;
  gStarted = true;
  return noErr;
}

void TerminateQTML() { gStarted = false; }

OSErr Gestalt(OSType selector, int32_t* response) {
  if (response == nullptr) return paramErr;
  if (selector != gestaltQuickTime || !gStarted) return qtmlUninitialized;
  *response = kQuickTimeVersion;
  return noErr;
}

OSErr EnterMovies() { return gStarted ? noErr : qtmlUninitialized; }

void ExitMovies() {}
