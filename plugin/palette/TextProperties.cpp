#include "plugin/palette/TextProperties.h"

TextProperties g_textProperties;
