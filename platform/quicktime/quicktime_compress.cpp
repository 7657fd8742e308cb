// The Animation codec over FFmpeg's qtrle encoder: every frame a key frame,
// so that each sample stands alone as QuickTime's compressed images do.

#include "platform/quicktime/GWorldRecord.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <cstring>

namespace {

constexpr int16_t kAnimationDepth = 32;

int32_t WidthOf(const Rect& rect) { return rect.right - rect.left; }
int32_t HeightOf(const Rect& rect) { return rect.bottom - rect.top; }

bool IsWholeWorld(PixMapHandle source, const Rect* rect) {
  if (source == nullptr || rect == nullptr) return false;
  const Rect& bounds = (*source)->bounds;
  return std::memcmp(&bounds, rect, sizeof(Rect)) == 0 && WidthOf(bounds) > 0 &&
         HeightOf(bounds) > 0;
}

// The encoder's own bound on a frame: every pixel twice over, each row's
// skip and end codes, the run codes and the frame's header.
int32_t LargestFrame(const Rect& rect) {
  const int32_t width = WidthOf(rect);
  const int32_t height = HeightOf(rect);
  return width * height * 4 * 2 + height * 3 + width + 64;
}

bool OpenEncoder(GWorldRecord& world) {
  if (world.encoder != nullptr) return true;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_QTRLE);
  if (codec == nullptr) return false;
  world.encoder = avcodec_alloc_context3(codec);
  world.frame = av_frame_alloc();
  world.packet = av_packet_alloc();
  if (world.encoder == nullptr || world.frame == nullptr || world.packet == nullptr) return false;
  AVCodecContext& encoder = *world.encoder;
  encoder.width = WidthOf(world.pixMap.bounds);
  encoder.height = HeightOf(world.pixMap.bounds);
  encoder.pix_fmt = AV_PIX_FMT_ARGB;
  encoder.time_base = AVRational{1, 600};
  encoder.gop_size = 1;
  return avcodec_open2(world.encoder, codec, nullptr) == 0;
}

// One frame through the encoder; the packet holds it afterwards.
bool Encode(GWorldRecord& world) {
  AVFrame& frame = *world.frame;
  frame.format = AV_PIX_FMT_ARGB;
  frame.width = world.encoder->width;
  frame.height = world.encoder->height;
  frame.data[0] = world.pixels;
  frame.linesize[0] = world.pixMap.rowBytes;
  frame.pict_type = AV_PICTURE_TYPE_I;
  av_packet_unref(world.packet);
  return avcodec_send_frame(world.encoder, &frame) == 0 &&
         avcodec_receive_packet(world.encoder, world.packet) == 0;
}

void Describe(ImageDescriptionHandle description, const Rect& rect, int32_t dataSize) {
  SetHandleSize(reinterpret_cast<Handle>(description), sizeof(ImageDescription));
  **description = ImageDescription{.idSize = sizeof(ImageDescription),
                                   .cType = kAnimationCodecType,
                                   .width = static_cast<int16_t>(WidthOf(rect)),
                                   .height = static_cast<int16_t>(HeightOf(rect)),
                                   .dataSize = dataSize,
                                   .depth = kAnimationDepth};
}

}  // namespace

OSErr GetMaxCompressionSize(PixMapHandle source, const Rect* sourceRect, int16_t, CodecQ,
                            CodecType type, CodecComponent, int32_t* size) {
  if (size == nullptr || !IsWholeWorld(source, sourceRect)) return paramErr;
  if (type != kAnimationCodecType) return noCodecErr;
  *size = LargestFrame(*sourceRect);
  return noErr;
}

OSErr CompressImage(PixMapHandle source, const Rect* sourceRect, CodecQ, CodecType type,
                    ImageDescriptionHandle description, Ptr data) {
  if (description == nullptr || data == nullptr || !IsWholeWorld(source, sourceRect)) {
    return paramErr;
  }
  if (type != kAnimationCodecType) return noCodecErr;
  GWorldRecord& world = *WorldOf(source);
  if (!OpenEncoder(world) || !Encode(world)) return codecErr;
  // The caller's buffer is as large as GetMaxCompressionSize said.
  if (world.packet->size > LargestFrame(*sourceRect)) return codecErr;
  std::memcpy(data, world.packet->data, static_cast<size_t>(world.packet->size));
  Describe(description, *sourceRect, world.packet->size);
  return noErr;
}
