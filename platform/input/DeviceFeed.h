// How the event pump hands physical input to the keyboard and mouse devices: each call updates the device
// state and appends an event to the buffer of every acquired device of that kind. Internal to platform/.
#pragma once

#include <cstdint>

namespace platform::input {

void FeedKey(uint32_t code, bool down);
void FeedMouseMotion(int32_t dx, int32_t dy);
void FeedMouseWheel(int32_t dz);
// Physical button index: 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
void FeedMouseButton(int index, bool down);

} // namespace platform::input
