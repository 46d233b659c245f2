// Forms, the application and screen objects, timers and threads in one include.
#pragma once

#include "Application.h"
#include "ClassThread.h"
#include "Controls.h"
#include "Form.h"
#include "TimerComponent.h"
