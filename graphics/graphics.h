// The front door of the graphics subsystem.
//
// The folder holds the window object and its thread (gwindow.h; the window
// is made in window_thread.cpp, drawn in window_frame.cpp and driven by the
// user in window_input.cpp; display_watch.h keeps the display's failures
// from ending the program), the display list and its commands
// (cmd_list.h, commands.h), the 2D and 3D cameras (camera.h), the label
// renderer (label.h), the right-click menu (popup_menu.h) and the built-in
// entries (graphics_builtins.h). The rest of the program needs only this:
#pragma once

// Registers the graphics built-ins in table order. The window code and the
// libraries it needs (the window system, OpenGL, fonts) live in a module,
// "quarn-graphics.so" beside the executable or in ../lib/quarn/ from it,
// loaded on the first call of a graphics built-in, so a script that draws
// nothing starts without them.
void registerGraphicsBuiltins();
