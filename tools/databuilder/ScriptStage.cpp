#include "tools/databuilder/ScriptStage.h"

#include "tools/databuilder/ClipSchemes.h"
#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/ScriptCompiler.h"
#include "tools/databuilder/TomlSources.h"

namespace databuilder {

BuiltScripts BuildScripts(const BuildSources& sources) {
  const InterfaceLayout layout = InterfaceLayout::Read(sources.mDataDirectory / "layout");
  const ClipSchemes clips = ClipSchemes::Read(sources.mDataDirectory / "clips.toml");
  ScriptCompiler compiler(sources.mManifest, layout, clips);
  for (const SourceFile& file : ReadSourceFolder(sources.mDataDirectory / "scripts")) {
    compiler.AddSource(file);
  }
  return compiler.Finish();
}

}  // namespace databuilder
