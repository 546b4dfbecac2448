#pragma once
// Text between the program's UTF-8 strings and Qt.
#include <QString>
#include <string>
#include <string_view>

namespace plexo::qt {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace plexo::qt
