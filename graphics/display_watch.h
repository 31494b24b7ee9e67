// The ways a window can vanish without the program asking: destroyed by
// another client (a window manager's kill of the window, a tool that destroys
// it) or its whole display connection cut (a kill of the client). The display
// library would end the process for either; here the window is only marked
// lost, and the window thread closes it as if the user had. Used on the
// window thread only.
#pragma once

struct SDL_Window;
union SDL_Event;

namespace display_watch {

// Starts watching a newly made window (nothing on a display without X).
// When the connection is cut, `connectionCut` is called on the window thread,
// which then never comes back.
void watch(SDL_Window* window, void (*connectionCut)());
// An event of the display system telling that the watched window was destroyed.
bool tellsWindowDestroyed(const SDL_Event& event);
// True once the watched window is gone.
bool windowLost();
// The watched window's X id, 0 for none.
unsigned long windowId();
// Stops watching (the window is about to be destroyed by the program).
void forget();
// After the window is destroyed: waits for the display's last word on it.
void settle();

}  // namespace display_watch
