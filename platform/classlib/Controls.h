// The component and control classes in one include.
#pragma once

#include "Component.h"
#include "Control.h"
#include "ControlCanvas.h"
#include "CustomControl.h"
#include "Events.h"
#include "GraphicControl.h"
#include "Menus.h"
#include "Messages.h"
#include "WinControl.h"
