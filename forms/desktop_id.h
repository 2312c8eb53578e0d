// The program's reverse-DNS id: the name of its desktop entry, icon and AppStream data.
#pragma once

namespace trelvane {
inline constexpr char kDesktopId[] = "io.github.trelvane.Trelvane";
} // namespace trelvane
