// Everything an editor needs from the toolkit, in one include.
#pragma once

#include "gui/CBitmap.h"
#include "gui/CControl.h"
#include "gui/CDrawContext.h"
#include "gui/CFont.h"
#include "gui/CFrame.h"
#include "gui/CGraphics.h"
#include "gui/CView.h"
#include "gui/controls/CAnimKnob.h"
#include "gui/controls/CButtons.h"
#include "gui/controls/CFileSelector.h"
#include "gui/controls/COptionMenu.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CSplashScreen.h"
#include "gui/controls/CSwitches.h"
#include "gui/controls/CTextEdit.h"
