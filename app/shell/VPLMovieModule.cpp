#include "app/shell/VPLMovieModule.h"

#include "app/shell/VPLShellAlert.h"

#include <cstdint>

namespace {

constexpr char kModuleName[] = "qtmlClient.dll";
constexpr UINT kNoMoviesMessage = 112;
// The selector of the movie layer's version; only the call's result counts.
constexpr uint32_t kVersionSelector = 0x7174696D;  // 'qtim'
constexpr int16_t kNoError = 0;

using InitializeCall = int16_t (*)(int32_t flags);
using GestaltCall = int16_t (*)(uint32_t selector, int32_t* response);
using EnterCall = int16_t (*)();
using ExitCall = void (*)();

template <typename Call>
Call Look(HMODULE module, const char* name) {
  return module != nullptr ? reinterpret_cast<Call>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

bool VPLMovieModule::Start() {
  mModule = LoadLibraryA(kModuleName);
  if (StartCalls()) return true;
  VPLShowStringAlert(kNoMoviesMessage, nullptr);
  return false;
}

bool VPLMovieModule::StartCalls() {
  const auto initialize = Look<InitializeCall>(mModule, "InitializeQTML");
  if (initialize == nullptr || initialize(0) != kNoError) return false;
  mInitialized = true;
  const auto gestalt = Look<GestaltCall>(mModule, "Gestalt");
  int32_t version = 0;
  if (gestalt == nullptr || gestalt(kVersionSelector, &version) != kNoError) return false;
  const auto enter = Look<EnterCall>(mModule, "EnterMovies");
  if (enter == nullptr || enter() != kNoError) return false;
  mEntered = true;
  return true;
}

void VPLMovieModule::Stop() {
  if (mEntered) {
    if (const auto exitMovies = Look<ExitCall>(mModule, "ExitMovies")) exitMovies();
    mEntered = false;
  }
  if (mInitialized) {
    if (const auto terminate = Look<ExitCall>(mModule, "TerminateQTML")) terminate();
    mInitialized = false;
  }
  if (mModule != nullptr) FreeLibrary(mModule);
  mModule = nullptr;
}
