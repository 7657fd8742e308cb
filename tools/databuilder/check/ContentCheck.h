#pragma once
// The content check: reads the built data files with the program's own
// readers and answers everything it finds wrong, each finding a sentence
// that names the file, table or item. An empty answer means the content
// is sound. The tests run it on the files the build made.

#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/Manifest.h"

#include <filesystem>
#include <string>
#include <vector>

namespace content_check {

using Findings = std::vector<std::string>;

// Each file opens with its reader, checksum verified, in collection 0, with
// the manifest's count of items.
Findings CheckFileHeaders(const std::filesystem::path& folder,
                          const databuilder::Manifest& manifest);
// Every id the program's code names is an item of its kind.
Findings CheckCodeIds(const std::filesystem::path& folder, const databuilder::Manifest& manifest);
// Every table reached from the tables the code opens: references land on
// tables with rows, ids name items, rows have their layout's size, and the
// tags the readers require are there.
Findings CheckScriptTables(const std::filesystem::path& folder,
                           const databuilder::Manifest& manifest);
// The tools' and objects' tables as their code reads them: an object's
// sounds are sound ids, every tool sounds each moment its code plays, and
// every tool's cursor row names a cursor model of its own.
Findings CheckToolTables(const std::filesystem::path& folder,
                         const databuilder::Manifest& manifest);
// Lists read side by side have as many items.
Findings CheckAlignedLists(const std::filesystem::path& folder);
// The content keeps the program's known misreadings harmless.
Findings CheckAbsorbedFaults(const std::filesystem::path& folder);
// Dialog texts and labels fit their panels; credit lines fit the page.
Findings CheckTexts(const std::filesystem::path& folder);
// Every object lies inside its screen's view and none overlaps another
// shown with it at its depth.
Findings CheckLayout(const databuilder::InterfaceLayout& layout);
// The pose knob circles on the middle of its arc inside the Pomble panel,
// and the fill options' swatch and preview take the chosen texture with
// texture coordinates.
Findings CheckOptionPanels(const std::filesystem::path& folder,
                           const databuilder::Manifest& manifest);
// The credits' title star shows inside the credits camera's view, clear
// of the quit question's panel.
Findings CheckCreditsStar(const std::filesystem::path& folder,
                          const databuilder::Manifest& manifest,
                          const databuilder::InterfaceLayout& layout);
// The program's string table names the six files built in the folder, and
// the folders the program needs.
Findings CheckStringTable(const std::filesystem::path& folder);

}  // namespace content_check
