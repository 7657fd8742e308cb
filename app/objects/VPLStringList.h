#pragma once
// The application's string list (script 8): text N is the row tagged N,
// its text found through the offset at byte 2 of the row.

#include "mm/resources/MMScript.h"

#include <cstdint>

class VPLStringList {
 public:
  static constexpr MMResourceId kScript = 8;

  VPLStringList() : mScript(kScript) {}

  // Empty when the list has no row with the tag.
  const char* GetText(int16_t tag) const;

 private:
  MMScript mScript;
};

// Texts of the list that the shell's messages use.
enum VPLStringListTag : int16_t {
  kVPLTextSketchbookWord = 0,
  kVPLTextSketchWord = 1,
  kVPLTextBmpExtension = 5,
  kVPLTextJpegExtension = 6,
  kVPLTextPrintDocument = 13,
  kVPLTextOutOfMemory = 20,
  kVPLTextCaptionFace = 39,
  kVPLTextCaptionPoints = 46
};

// Shows the list's text in an information alert over the running
// application.
void VPLAlertStringListText(int16_t tag);
