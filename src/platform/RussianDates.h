#pragma once
// Russian dates in Qt's own dialogs.

// Qt's file dialogs format dates in the system locale, which Qt reads from the environment once:
// names Russian for dates (LC_TIME) unless the user set LC_ALL. Run before the application object
// is created.
void UseRussianDates();
