// The program's start-up: the application object, the three forms and the
// message loop.
#pragma once

#include <string>

// Creates Form1 (the first form, hence the main form), Form2 and Form3 in that
// order, owned by the application and kept in their globals. An error while a
// form is made propagates; the forms made before it stay with the application.
void CreateForms();
// Destroys every component the application owns and clears the three globals.
void DestroyForms();

// Initialises the application, creates the forms and runs the message loop
// until the main form closes. An Exception that escapes goes to the
// application's HandleException (the exception dialog); any other error goes
// there as an Exception with an empty message. The forms are destroyed before
// it returns. With a folder for shots, pictures of the three windows are saved
// there shortly after start and the main form is then closed (DemoShots.h).
// Returns the exit code: 0, also after an exception was shown; 1 when a
// picture could not be saved.
int RunMostrana(const std::string& shotsFolder = "");

// True when real windows were wanted (SUITE_DISPLAY unset, or naming another
// back end than "headless") but the display layer fell back to its headless
// back end, because no display exists or SDL could not start.
bool GraphicalDisplayMissing();
