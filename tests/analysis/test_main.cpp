// Runs the analysis tests in the C locale, so that no number formatting in the code under
// test can lean on a locale that happens to be set on the machine.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>

int main(int argc, char **argv)
{
    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
