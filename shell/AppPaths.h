#pragma once
// Where the program finds the files it ships with.

#include <QString>

namespace rillo::shell {

/// The name of the template deck that File > New opens.
inline constexpr const char* TemplateFileName = "blank.sin";

/// The template deck for a program in `applicationFolder`: beside the
/// executable (the build tree) first, then in ../share/rillo2000/ relative to
/// it (the install tree). When neither exists the path beside the executable
/// is returned, so that opening it reports the missing file.
QString templatePath(const QString& applicationFolder);

}  // namespace rillo::shell
