// libFuzzer target: the PNG decoder.
#include "picture_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return korvane::fuzz::CheckDecoder(korvane::codec::DecodePng, data, size);
}
