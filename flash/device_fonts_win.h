// Device fonts from the system's installed fonts (GDI).
#pragma once

namespace flash {

// Makes device text read the system's TrueType fonts.
void InstallWindowsFonts();

}  // namespace flash
