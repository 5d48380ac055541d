#include "slide_decoder_choice.h"

#include "wic_slide_decoder.h"

namespace tessaro {

std::unique_ptr<SlideDecoder> MakeSlideDecoder() { return std::make_unique<WicSlideDecoder>(); }

}  // namespace tessaro
