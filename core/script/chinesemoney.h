#pragma once

#include <QString>

#include <optional>

// An amount of money in the upper-case characters of Chinese financial writing, rounded to
// fen (half away from zero): 1234.56 → 壹仟贰佰叁拾肆元伍角陆分, 100000 → 壹拾万元整,
// 10^12 → 壹万亿元整, -3 → 负叁元整. 元 follows every non-zero yuan part; 整 ends an amount
// without jiao and fen; one 零 stands for a run of zeros inside the number.
// nullopt for amounts of 10^16 or more (and for infinities and NaN).
std::optional<QString> ChineseMoneyText(double amount);
