#pragma once

#include "CPage.h"

class QWidget;

// A settings, information or empty page by its id; null for an id that names none of them (the
// connection page is the main window's own).
CPage* CreatePage(int id, IPageHost& host, QWidget* parent);
