% Start-up and shut-down alone: a script that does nothing.
