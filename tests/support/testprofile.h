#pragma once

// The program's profile (QSettings "MorvelSoft"/"Vantrel") in the tests' own place, never a
// real user's. useTestProfile switches Qt's test locations on and says whether the profile is
// there now (call it in initTestCase); clearTestProfile empties its "Settings" group, so that
// a test starts from the program's defaults.
bool useTestProfile();
void clearTestProfile();
