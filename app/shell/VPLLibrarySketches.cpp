#include "app/shell/VPLLibrarySketches.h"

#include "app/creation/VPLCreation.h"
#include "app/shell/VPLSketchbookLibrary.h"

namespace {

// The creation's record in the sketch's stream.
class CreationRecord : public VPLSketchCreation {
 public:
  explicit CreationRecord(VPLCreation& creation) : mCreation(creation) {}
  bool Write(UURandomAccessStream& stream) override { return mCreation.Write(stream); }
  bool Read(UURandomAccessStream& stream) override { return mCreation.Read(stream); }

 private:
  VPLCreation& mCreation;
};

}  // namespace

VPLSketchbook* VPLLibrarySketches::Book() const { return mLibrary.GetCurrentSketchbook(); }

VPLSketch* VPLLibrarySketches::Current() const {
  return Book() != nullptr ? Book()->GetCurrentSketch() : nullptr;
}

bool VPLLibrarySketches::ReadCurrentSketch(VPLCreation& creation) {
  CreationRecord record(creation);
  return Current() != nullptr && Current()->ReadCreation(record);
}

bool VPLLibrarySketches::WriteCurrentSketch(VPLCreation& creation, const MMBitmap& thumbnail) {
  CreationRecord record(creation);
  return Current() != nullptr && Current()->Write(&record, thumbnail);
}

std::string VPLLibrarySketches::GetCurrentSketchName() const {
  const VPLSketch* sketch = Current();
  if (sketch == nullptr) return std::string();
  return std::string(sketch->GetDirectory().Text()) + sketch->GetFileName();
}

int32_t VPLLibrarySketches::GetSketchCount() const {
  return Book() != nullptr ? Book()->GetSketchCount() : 0;
}

int32_t VPLLibrarySketches::NewSketch() {
  VPLSketch* made = nullptr;
  if (Book() == nullptr || !Book()->NewSketch(made) || made == nullptr) return -1;
  for (int32_t n = 0; VPLSketch* sketch = Book()->GetSketchAt(n); ++n) {
    if (sketch == made) return n;
  }
  return -1;
}

bool VPLLibrarySketches::SelectSketch(int32_t index) {
  return Book() != nullptr && Book()->SelectSketchAt(index);
}

int32_t VPLLibrarySketches::GetCurrentSketchbookIndex() const { return mLibrary.GetCurrentIndex(); }
