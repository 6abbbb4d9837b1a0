#pragma once
// The error list as texts: the heading line and the lines of every entry, exactly as the error
// list panel and vnx-check show them.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/epoch/scan_error.h"

namespace vnx {

inline constexpr const char* kErrorListHeading = "     Errors:";

// The lines of one entry: one, or two for bytes that belong to no frame.
std::vector<std::string> ErrorTexts(const ScanError& e);
// The heading, then the lines of every entry.
std::vector<std::string> ErrorListLines(const std::vector<ScanError>& errors);

// "message", "unframed_bytes", "file", "epoch": the kind in machine-readable output.
const char* ErrorKindName(ScanErrorKind kind);

// Lower-case hex without leading zeros ("0" for zero).
std::string HexOffset(uint64_t v);

}  // namespace vnx
