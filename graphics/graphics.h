// The front door of the graphics subsystem.
#pragma once

// Prepares the window machinery and registers the graphics built-ins in
// table order.
void registerGraphicsBuiltins();
