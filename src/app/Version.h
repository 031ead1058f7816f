#pragma once

// The version the About box and the configuration report show.
inline constexpr const char *ProgramVersion = "2.9f";
