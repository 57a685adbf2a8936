#pragma once

#include <string>
#include <vector>

#include "Stats.h"

// The benchmark's figures, each measured against its floor in alternating
// rounds.
namespace dorvint::bench {

// A refresh pass as the program runs it, in this process, against bare
// library calls over the same files.  The stand-in libraries must lie beside
// this program (`present`) or be absent altogether.
std::vector<Figure> RefreshFigures(bool present);

// From process start to the window shown: the program against the minimal
// program, both beside the stand-in libraries.
std::vector<Figure> StartUpFigures(const std::wstring& program, const std::wstring& minimal);

// Milliseconds per WM_PAINT: the program with its picture strip on against
// the same program with the strip off and against the minimal program
// painting the picture with SetPixel.
std::vector<Figure> PaintFigures(const std::wstring& stripProgram, const std::wstring& plainProgram,
                                 const std::wstring& minimal);

}  // namespace dorvint::bench
