#pragma once
// A file read from a disc that the user may take out: a read that fails
// with a device or media error asks for the disc ("Reinsert the CD" in a
// box captioned "Missing CD") and, after OK, repeats the request from its
// start. Any other failure, a short read at the end of the file included,
// fails at once as UUFile does.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUStringResource.h"

class UURecoverableCDFile : public UUFile {
 public:
  UURecoverableCDFile();
  UURecoverableCDFile(const UUDirectory& directory, const char* name);

  bool Read(void* buffer, uint32_t n) override;
  // Shows the box once; true when the user pressed OK.
  bool AskRetry();

 private:
  void CopyMessages();

  char mMessage[256] = {};
  char mCaption[256] = {};
};

// Loads the process-wide message and caption once, from the string table
// or their defaults.
void UULoadCDMessages();
