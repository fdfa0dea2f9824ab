#pragma once

class TForm1;
class TForm2;
class TForm3;
class TForm4;

// The program's four windows: single instances, created at start-up in this
// order and alive until the end; the main window owns the other three.
struct TWindows {
    TForm1* Form1 = nullptr; // main window
    TForm2* Form2 = nullptr; // message window
    TForm3* Form3 = nullptr; // avoid-races window
    TForm4* Form4 = nullptr; // star map
};
