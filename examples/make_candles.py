#!/usr/bin/env python3
"""Writes the example candle files of examples/candles from a fixed seed.

The example portfolio (portfel.xml) reads three chart lines:
  PRICE line 0  a share's 5-minute candles (ticker SBER);
  PRICE line 1  their 20-candle moving average on the same chart (SBER_MA20);
  RSI line 0    a daily oscillator (SBER_RSI).
The terminal holds one interval per chart, so the condition on "PRICE" at "1 ЧАС" reads the same
5-minute chart. The files are in the terminal's export layout with CR LF line ends. The numbers come
from a small generator of our own, so the same seed gives the same bytes on any Python 3.
"""
import math
import os
import sys
from datetime import date, timedelta

SEED = 20240304
FIRST_DAY = date(2024, 3, 4)
TRADING_DAYS = 14
HOLIDAYS = {date(2024, 3, 8)}
DAY_START_MINUTES = 10 * 60 + 30
CANDLES_PER_DAY = 99  # 10:30 to 18:40, the last one ends at 18:44:59
AVERAGE_LENGTH = 20
HEADER = "<TICKER>,<PER>,<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>"


class Numbers:
    """A 64-bit linear congruential generator with Box-Muller normals."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def uniform(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return ((self.state >> 11) + 0.5) / float(1 << 53)

    def normal(self):
        return math.sqrt(-2.0 * math.log(self.uniform())) * math.cos(2.0 * math.pi * self.uniform())


def trading_days(first, count):
    days = []
    day = first
    while len(days) < count:
        if day.weekday() < 5 and day not in HOLIDAYS:
            days.append(day)
        day += timedelta(days=1)
    return days


def days_before(first, count):
    days = []
    day = first - timedelta(days=1)
    while len(days) < count:
        if day.weekday() < 5 and day not in HOLIDAYS:
            days.append(day)
        day -= timedelta(days=1)
    return list(reversed(days))


def price(value):
    return f"{value:.2f}"


def row(ticker, period, day, minutes, o, h, l, c, volume):
    time = f"{minutes // 60:02d}{minutes % 60:02d}00"
    return f"{ticker},{period},{day:%Y%m%d},{time},{price(o)},{price(h)},{price(l)},{price(c)},{volume}"


def five_minute_candles(numbers, days):
    """A drifting random walk around 245 that rises above 250 now and then."""
    candles = []
    close = 243.0
    for index, day in enumerate(days):
        # A swing of about five days carries the price above 250 on a few of them.
        target = 245.0 + 5.5 * math.sin(index * 1.3)
        for k in range(CANDLES_PER_DAY):
            open_ = close + (numbers.normal() * 0.4 if k == 0 else 0.0)
            pull = (target - open_) * 0.03
            close = open_ + pull + numbers.normal() * 0.35
            high = max(open_, close) + abs(numbers.normal()) * 0.15
            low = min(open_, close) - abs(numbers.normal()) * 0.15
            volume = 1000 + int(numbers.uniform() * 9000)
            candles.append((day, DAY_START_MINUTES + 5 * k, open_, high, low, close, volume))
    return candles


def moving_average(candles):
    average = []
    closes = []
    for day, minutes, _, _, _, close, _ in candles:
        closes.append(round(close, 2))
        window = closes[-AVERAGE_LENGTH:]
        value = sum(window) / len(window)
        average.append((day, minutes, value, value, value, value, 0))
    return average


def daily_oscillator(numbers, days):
    """Rises day after day, so the turn upward that the portfolio looks for never comes."""
    candles = []
    value = 38.0
    for day in days:
        value += 1.0 + numbers.uniform() * 1.5
        candles.append((day, 0, value, value, value, value, 0))
    return candles


def write(folder, name, lines):
    with open(os.path.join(folder, name), "w", encoding="ascii", newline="\r\n") as f:
        f.write("\n".join([HEADER] + lines) + "\n")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "candles")
    os.makedirs(folder, exist_ok=True)
    numbers = Numbers(SEED)
    days = trading_days(FIRST_DAY, TRADING_DAYS)
    prices = five_minute_candles(numbers, days)
    write(folder, "price0_5min.txt", [row("SBER", 5, d, m, o, h, l, c, v) for d, m, o, h, l, c, v in prices])
    write(folder, "price1_5min.txt",
          [row("SBER_MA20", 5, d, m, o, h, l, c, v) for d, m, o, h, l, c, v in moving_average(prices)])
    oscillator = daily_oscillator(numbers, days_before(FIRST_DAY, 10) + days)
    write(folder, "rsi0_day.txt", [row("SBER_RSI", "D", d, 0, o, h, l, c, v) for d, m, o, h, l, c, v in oscillator])


if __name__ == "__main__":
    main()
