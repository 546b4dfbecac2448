#include "signal/calc_settings.h"

#include "signal/number_text.h"

namespace plexo {

std::string DialogTextExponent(double value) { return FormatE(value, 2); }

std::string DialogTextInteger(double value) { return FormatF(value, 0); }

std::string DialogTextThreshold(double value) { return FormatF(value, 4); }

double DialogTextToValue(std::string_view text) { return ParseDouble(text); }

}  // namespace plexo
