#pragma once

#include <string_view>

// The sample receipts that come with the tools (samples/test-print.*.txt, built in), in the
// languages of the interface.
enum class SampleLanguage { Russian, English };

std::string_view BuiltInSample(SampleLanguage language);
