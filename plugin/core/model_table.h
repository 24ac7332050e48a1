// Model classes: which print-parameter controls and ranges a printer gets,
// decided from patterns in its driver name.
#pragma once

#include <cstdint>
#include <string_view>

namespace lx {

inline constexpr int kModelClassCount = 5;

// The class of the first group with a pattern that occurs in the driver's
// name (its first 31 characters; trailing blanks of a pattern count), or
// `current` when no pattern occurs.
int ApplyModelTable(std::u16string_view driverName, int current);

// The `Type` of the configuration file as a class: 100 (absent) and values
// outside the classes count as 0.
int ModelClassFromType(uint32_t type);

// The constant the Print parameters page writes into the private DEVMODE.
int32_t ModelClassValue(int modelClass);

}  // namespace lx
