#include "support/TestPlugin.h"
