#include "tools/databuilder/check/BuiltModels.h"

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "platform/win32/PathMapping.h"

namespace content_check {

Findings CheckEachBuiltModel(const std::filesystem::path& folder,
                             const databuilder::Manifest& manifest, const BuiltModelCheck& check) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  MM3DModelLoader* loader = MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false);
  if (loader == nullptr) return {"vpl3d.MMM does not open"};
  Findings findings;
  for (const databuilder::ManifestItem& item : manifest.GetItems(databuilder::ItemKind::kModel)) {
    UURefCount<MM3DModel> model = loader->GetModel(static_cast<int16_t>(item.mId), nullptr);
    if (model.IsEmpty() || !model->HasDisplayTree()) continue;
    const Findings more = check(*model, item.mName);
    findings.insert(findings.end(), more.begin(), more.end());
  }
  MM3DDestroyModelCollections();
  return findings;
}

}  // namespace content_check
