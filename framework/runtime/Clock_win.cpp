#include <ctime>

std::tm LocalCalendarTime(std::time_t seconds)
{
    std::tm local{};
    localtime_s(&local, &seconds);
    return local;
}
