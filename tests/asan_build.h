#pragma once
// KORVANE_ASAN is defined in an AddressSanitizer build, whose shadow memory
// rules out address-space limits in tests.
#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ASAN 1
#endif
#endif
