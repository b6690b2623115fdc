#pragma once

// Each group of the picture-file tests; they return QTest::qExec's result.
int runNamesTests(int argc, char** argv);
int runBmpTests(int argc, char** argv);
int runJpegTests(int argc, char** argv);
int runIconTests(int argc, char** argv);
int runSaveTests(int argc, char** argv);
