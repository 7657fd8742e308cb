#pragma once
// What the creation area asks of the character beyond a created object:
// its part highlight, its parts and its performance. The character object
// implements it beside VPLObjCreation; the area finds it on the creation's
// character with dynamic_cast and goes without when it is absent.

class VPLCreationCharacter {
 public:
  virtual ~VPLCreationCharacter() = default;

  // Builds the highlight that shows the missing parts.
  virtual void SetUpPartHighlight() = 0;
  // Switches all six body parts off.
  virtual void AllPartsOff() = 0;
  // Around writing the sketch: the highlight is not pictured or stored.
  virtual void HidePartHighlight() = 0;
  virtual void RefreshPartHighlight() = 0;
  virtual bool IsPerforming() const = 0;
  virtual void StartPerformance() = 0;
  virtual void StopPerformance() = 0;
};
