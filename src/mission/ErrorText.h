#pragma once
// The description of an errno value, as the end of a sentence names it.

#include <string>

namespace kestrane {

// The English description of err ("No such file or directory"), the same in
// every locale and on every thread where the C library can give it so.
std::string ErrorText(int err);

}  // namespace kestrane
