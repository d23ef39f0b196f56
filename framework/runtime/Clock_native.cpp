#include <ctime>

std::tm LocalCalendarTime(std::time_t seconds)
{
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}
