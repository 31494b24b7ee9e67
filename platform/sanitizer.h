// Whether this build runs under the address sanitizer. The program's own
// pools and page blocks step aside there, so that the sanitizer sees every
// allocation and every stale use.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
