#pragma once
// printf-style formatting into a std::string of any length; the compiler checks the arguments
// against the format.

#include <string>

namespace gamelines {

__attribute__((format(printf, 1, 2))) std::string Format(const char *format, ...);

} // namespace gamelines
