#pragma once
// JSON for the testbed's line files (the stand-in's journal and items, the robot's transcript):
// nlohmann-json's ordered_json, so that members stay in the order they were added, one compact
// object per line in UTF-8.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace testbed {

using Json = nlohmann::ordered_json;

// UTF-16 text as a JSON string. A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
Json JsonText(std::wstring_view text);
// The line of a line file for `value`: compact JSON, numbers in their shortest exact form (NaN
// and infinities, which JSON lacks, as null).
std::string JsonLine(const Json& value);

}  // namespace testbed
