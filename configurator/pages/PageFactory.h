#pragma once

#include <vector>

#include "CPage.h"

class QWidget;

// The settings, information and empty pages, all at once, so that the page area can take the
// size of the largest (the connection page is the main window's own).
std::vector<CPage*> CreatePages(IPageHost& host, QWidget* parent);
