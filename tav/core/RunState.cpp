#include "tav/core/RunState.h"

bool AbortRequested = false;
bool PreviewMode = false;
double ScreenDotsPerMm = kDefaultScreenDotsPerMm;
