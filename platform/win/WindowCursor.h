// The mouse cursor as a program sees it: its position in screen pixels (kept by the platform from the events
// it pumps, since SDL's offscreen driver reports none), conversions between screen and client pixels, the
// show counter (shown while 0 or more), the swapped-buttons setting and the cursor image: the system arrow
// or one of the program's own cursor images, which the program registers at start because Linux programs
// carry no resources of their own. Where the video driver has no cursors (offscreen) only the handles exist.
#pragma once

#include "platform/win/NativeWindow.h"

#include <cstdint>

namespace platform {

void GetCursorPos(int32_t& x, int32_t& y);
// Moves the system cursor (screen pixels); the move is not reported as mouse motion to the input devices.
void SetCursorPos(int32_t x, int32_t y);
void ScreenToClient(WindowHandle window, int32_t& x, int32_t& y);
void ClientToScreen(WindowHandle window, int32_t& x, int32_t& y);

// Raises (show) or lowers the display counter by one and returns its new value.
int ShowCursor(bool show);
// True when the user swapped the primary and secondary mouse buttons.
bool GetSwapButtons();

CursorHandle LoadArrowCursor();
// The program's cursor image with this id: RGBA pixels, top row first, the hot spot in pixels from the
// top-left corner. Registering an id again replaces its image. Nothing is kept for an empty image.
void RegisterCursorResource(uint16_t id, uint32_t width, uint32_t height, const uint8_t* rgba, int32_t hotX,
                            int32_t hotY);
// The program's cursor resource with this id; the arrow for an id the program has not registered.
CursorHandle LoadCursorResource(uint16_t id);
void SetCurrentCursor(CursorHandle cursor);
CursorHandle GetCurrentCursor();

} // namespace platform
