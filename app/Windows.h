#pragma once

// The program's windows, created once at start and reached through these.
class TSplash;
class TForm1;
class ThelpDialog;
class TForm8;
class TForm10;
class TForm20;
class TForm5;

extern TSplash *Splash;
extern TForm1 *Form1;
extern ThelpDialog *helpDialog;
extern TForm8 *Form8;
extern TForm10 *Form10;
extern TForm20 *Form20;
extern TForm5 *Form5;
