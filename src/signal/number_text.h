#pragma once
// Number text for every file and label the program writes or reads.
//
// Parsing follows the C atof/atoi rules (leading blanks skipped, longest numeric prefix, 0 when
// there is none) but never depends on the process locale: a desktop locale must not turn "." into
// ",". Printing reproduces the printf formats the files use, with exponents of at least three
// digits (1.234560e-005), the form every stored file and peer program expects.
#include <string>
#include <string_view>

namespace plexo {

// atof: blanks skipped, longest prefix that strtod accepts in the C locale, 0 when none.
// Plain decimal numbers take a fast, correctly rounded path; everything else (hex, inf, nan,
// a leading '+', over-long texts) goes to ParseDoubleByStrtod. Both give the same bits.
double ParseDouble(std::string_view text);
// The same rules by strtod alone: the reference the fast path is checked against. Numeric
// prefixes are cut at 511 characters.
double ParseDoubleByStrtod(std::string_view text);
// A whole line that is only a plain decimal number, "[-]digits[.digits]" with at most 15
// digits, ended by LF, CR LF, or the end of the text at `last`: stores the value ParseDouble
// gives for it and returns the start of the next line. nullptr for any other line (a blank, a
// '+', an exponent, letters, more digits, a lone CR), which the caller reads the general way.
// Such lines are what most waveform files consist of; this reads them in one pass.
const char* ParsePlainDecimalLine(const char* p, const char* last, double& value);
// A text that is one number and nothing else but blanks (spaces, tabs) before and after it, as
// strtod reads numbers in the C locale: true with the value (the value ParseDouble gives), false
// for an empty text, letters, a decimal comma, or anything after the number. The value may be
// infinite or NaN ("inf", "nan", "1e400"): whether that is allowed is the caller's rule.
bool ParseWholeNumber(std::string_view text, double& value);
// Whether the text, blanks aside, looks like a number written with a decimal comma ("0,0019",
// "-1,5e-3"): a hint for the message that refuses it.
bool LooksLikeDecimalComma(std::string_view text);
// atoi: blanks skipped, optional sign, decimal digits; 0 when none. Saturates at the int range.
int ParseInt(std::string_view text);

// "%e" with the given precision ("%.2e" is FormatE(v, 2), "%1.14e" is FormatE(v, 14)).
std::string FormatE(double value, int precision = 6);
// "%f" with the given precision ("%.0lf" is FormatF(v, 0), "%.4f" is FormatF(v, 4)).
std::string FormatF(double value, int precision = 6);
// "%d".
std::string FormatD(long long value);

// Appends "%e" text to out without a temporary string (hot loops of the table writers).
void AppendE(std::string& out, double value, int precision = 6);
void AppendF(std::string& out, double value, int precision = 6);
// The shortest text that reads back as the same double ("0.0030517578125", "2e-07"): for files
// whose numbers must survive a round trip (imports), where "%e" would keep seven digits.
void AppendRoundTrip(std::string& out, double value);
std::string FormatRoundTrip(double value);

// The C printf "%d" of a double field: truncation toward zero, saturating at the int range.
int TruncateToInt(double value);

}  // namespace plexo
