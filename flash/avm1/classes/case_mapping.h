// The case mapping String.toUpperCase and toLowerCase use, one UTF-16
// unit at a time (units without a pair come back unchanged).
#pragma once

namespace flash::avm1 {

char16_t ToUpperUnit(char16_t c);
char16_t ToLowerUnit(char16_t c);

}  // namespace flash::avm1
