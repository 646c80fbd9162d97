// Texts for the text-to-number conversions, generated: signs before and
// after, parentheses, blanks, tabs and full-width blanks, thousands
// separators in odd places, decimal points, exponents, &H and &O of every
// width, values at and past each type's limits, half-way values, empty
// texts and junk, full-width digits and the yen sign. UTF-8.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> NumberTexts();
