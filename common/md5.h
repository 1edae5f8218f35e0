// MD5 (RFC 1321) of a byte string, as the desktop's thumbnail cache names its files. Not for
// anything that needs a secure hash.
#pragma once

#include <string>
#include <string_view>

namespace pelimon {

// The 32 lower-case hexadecimal digits of the MD5 digest of `bytes`.
std::string Md5Hex(std::string_view bytes);

}  // namespace pelimon
