// libFuzzer target: decoding by content, as a file of unknown kind is opened.
#include "picture_harness.h"

namespace {
bool ByContent(const uint8_t* data, size_t size, korvane::RowSink& sink, std::string& error) {
  return korvane::DecodePictureMemory(data, size, "input.bin", sink, error);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return korvane::fuzz::CheckDecoder(ByContent, data, size);
}
