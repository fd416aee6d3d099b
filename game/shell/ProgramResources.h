// The program's own resources: the executable carries them as a table compiled in at build time, and the
// system cursor images among them are decoded here and handed to the platform, whose window then finds
// them by resource id. Called by the program entry once, before the window loads a cursor.
#pragma once

#include <cstddef>
#include <cstdint>

namespace VelmoraBall {

// A PNG cursor image whose hot spot is its top-left pixel. False, with nothing registered, when the bytes
// are no picture; the window then uses the system arrow for that id.
bool InstallCursorResource(uint32_t id, const uint8_t* png, size_t size);

} // namespace VelmoraBall
