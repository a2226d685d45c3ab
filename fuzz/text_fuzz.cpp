// Any bytes as typed text or as numbers: conversion and parsing stay in bounds,
// and OEM text survives the way through Unicode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/codepage.h"
#include "core/text/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)storedText(bytes, 18);
    if (utf8ToOem(oemToUtf8(bytes)) != bytes) __builtin_trap();
    long double value = 0;
    if (parseNumber(bytes, value)) (void)fixedNumber(value, 5, 3, {});
    long long integer = 0;
    (void)parseInteger(bytes, integer);
    return 0;
}
