#pragma once
#include <string>
#include <vector>

// The kinds of junk ticked on the first page, carried on the command line when Varnox starts
// itself again with administrator rights: "/kinds=1,3,5", the numbers of the category boxes
// (FxCheckBox1 to FxCheckBox10).
std::wstring KindsArgument(const std::vector<int>& boxes);
// The boxes the command line names; false, with boxes untouched, when it holds anything but one
// such argument (a missing or damaged one is ignored, the layout's ticks then stand).
bool ParseKindsArgument(const std::wstring& commandLine, std::vector<int>& boxes);
