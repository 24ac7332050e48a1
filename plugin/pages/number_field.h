// The number fields of the document pages: what may be typed into them, how
// their text is read as a number, and what they show with and without the
// focus. Plain functions over text and selections; the page base applies
// them to its fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lx {

// How a field shows its value while it does not have the focus.
enum class NumberFormat {
  kMillimetres2,  // "%0.2f %s"
  kMillimetres1,  // "%0.1f %s"
  kPlain2,        // "%0.2f"
  kInteger,       // "%d"
};

// The characters a field takes while typing: the first half of each set,
// then the full-width counterparts in the same order. kAny filters nothing.
enum class NumberChars { kAny, kUnsigned, kSigned };
std::u16string_view AllowedCharacters(NumberChars chars);

// What typing left in a field once the characters outside the set are gone
// and full-width ones are mapped to their counterparts; the selection keeps
// its logical place. Nothing when the text needed no change, or when it
// holds the unit (the field shows its value then, not typing).
struct TypedText {
  std::u16string text;
  int selStart = 0, selEnd = 0;
};
std::optional<TypedText> FilterTyped(std::u16string_view text, NumberChars chars, std::u16string_view unit,
                                     int selStart, int selEnd);

// The text as a number: full-width blank, minus, full stop and digits are
// mapped first; then leading white space is skipped and a decimal number
// with "." as its separator is read up to the first character that does not
// belong to it. No number gives 0. Always finite: an exponent too large is
// held at +-1e300.
double ReadNumber(std::u16string_view text);

// Half away from zero to `decimals` places; a result within 0.00001 of zero
// is 0.
double RoundTo(double value, int decimals);

// The text a field shows while it has the focus: the value to two decimals
// without unit, or nothing when it is zero.
std::u16string FocusText(std::u16string_view shown);
// Where the caret goes once the focus text is in place, from the selection
// the field had: a caret inside the text moves one to the left, a selection
// ending inside the text puts the caret one left of its end, anything else
// puts it at the end.
int FocusCaret(int selStart, int selEnd, int length);

// The text a field shows without the focus. Values outside the 32-bit range
// are held at its ends for kInteger.
std::u16string FormatNumber(NumberFormat format, double value, std::u16string_view unit);

}  // namespace lx
