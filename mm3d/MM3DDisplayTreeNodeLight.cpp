#include "mm3d/MM3DDisplayTreeNodeLight.h"

#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DRenderContext.h"

void MM3DDisplayTreeNodeLight::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                      MM3DRenderer& renderer) {
  MM3DLight* light = mLight.Get();
  context.PushLight(light);
  RenderChildren(context, pipeline, renderer);
  context.PopLight(light);
}

bool MM3DDisplayTreeNodeLight::Write(UUWriter& writer, MM3DModDatabase& database) {
  return MM3DModDatabase::WriteShared(writer, database.GetLights(), mLight) &&
         WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeLight::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DModDatabase::ReadShared(reader, database.GetLights(), mLight) &&
         ReadChildren(reader, database);
}
