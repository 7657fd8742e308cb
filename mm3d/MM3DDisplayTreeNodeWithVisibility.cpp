#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

void MM3DDisplayTreeNodeWithVisibility::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                               MM3DRenderer& renderer) {
  if (IsVisible()) RenderChildren(context, pipeline, renderer);
}

void MM3DDisplayTreeNodeWithVisibility::ChangeVisibility(int32_t visible) {
  if (visible != mVisible) SetVisibility(visible);
}

void MM3DDisplayTreeNodeWithVisibility::SetVisibilityFromValue(float value) {
  ChangeVisibility(value != 0.0f ? 1 : 0);
}

bool MM3DDisplayTreeNodeWithVisibility::Write(UUWriter& writer, MM3DModDatabase& database) {
  return writer.WriteInt32s(&mVisible, 1) && WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeWithVisibility::Read(UUReader& reader, MM3DModDatabase& database) {
  int32_t visible = 0;
  if (!reader.ReadInt32s(&visible, 1)) return false;
  ChangeVisibility(visible);
  return ReadChildren(reader, database);
}
