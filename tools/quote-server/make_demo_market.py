#!/usr/bin/env python3
"""Writes the demo market: made-up companies with plausible figures, one CSV row each.

Run once and check the output in; the seed keeps the file stable:
    tools/quote-server/make_demo_market.py > data/demo-market.csv
"""
import math
import random

COUNT = 300
SEED = 1977

FIRST = ["Amber", "Birch", "Cobalt", "Delta", "Ember", "Falcon", "Granite", "Harbor", "Iron",
         "Juniper", "Kestrel", "Lumen", "Meridian", "Nimbus", "Onyx", "Pioneer", "Quarry",
         "Redwood", "Summit", "Tidal", "Upland", "Vantage", "Willow", "Zenith", "Aspen",
         "Beacon", "Cedar", "Drift", "Evergreen", "Foundry", "Glacier", "Halcyon", "Ivory",
         "Jasper", "Keystone", "Lantern", "Mesa", "Northgate", "Orchard", "Prairie"]
SECOND = ["Widgets", "Pharmaceuticals", "Energy", "Holdings", "Software", "Foods", "Motors",
          "Semiconductor", "Logistics", "Mining", "Textiles", "Airlines", "Bancorp",
          "Chemicals", "Networks", "Instruments", "Retail", "Paper", "Steel", "Health"]
SUFFIX = ["Corp", "Inc", "Co", "Group", "Ltd", "Industries"]
EXCHANGES = ["NYSE", "NASDAQ NM", "AMEX"]
# Letters that the option symbol rules treat as no root letter are kept out of the last two root
# places, so that nearly every demo symbol shows an option chain.
ROOT_LETTERS = "ABCDEFGHIJKLMNOPQRSTUVW"


def make_symbol(rng, taken):
    while True:
        length = rng.choice([1, 2, 3, 3, 3, 4, 4])
        symbol = "".join(rng.choice(ROOT_LETTERS) for _ in range(length))
        if symbol not in taken:
            taken.add(symbol)
            return symbol


def cents(value):
    return f"{round(value, 2):.2f}"


def row(rng, symbol):
    name = f"{rng.choice(FIRST)} {rng.choice(SECOND)} {rng.choice(SUFFIX)}"
    last = round(math.exp(rng.uniform(math.log(4), math.log(240))), 2)
    previous = round(last * (1 + rng.gauss(0, 0.015)), 2)
    change = round(last - previous, 2)
    spread = max(0.01, round(last * 0.0008, 2))
    bid, ask = last - spread / 2, last + spread / 2
    opening = previous * (1 + rng.gauss(0, 0.006))
    high = max(last, opening, previous) * (1 + abs(rng.gauss(0, 0.006)))
    low = min(last, opening, previous) * (1 - abs(rng.gauss(0, 0.006)))
    high52 = max(high, last * rng.uniform(1.05, 1.8))
    low52 = min(low, last * rng.uniform(0.45, 0.95))
    volume = int(math.exp(rng.uniform(math.log(20_000), math.log(9_000_000))))
    yield_percent = 0.0 if rng.random() < 0.35 else round(rng.uniform(0.3, 5.5), 2)
    dividend = round(last * yield_percent / 100, 2)
    eps = round(last / rng.uniform(6, 45), 2) if rng.random() < 0.85 else -round(rng.uniform(0.1, 3), 2)
    pe = round(last / eps, 2) if eps > 0 else 0.0
    shares = int(math.exp(rng.uniform(math.log(8_000), math.log(2_500_000))))
    beta = round(rng.uniform(0.4, 2.2), 2)
    call_iv = round(rng.uniform(0.14, 0.85), 4)
    put_iv = round(call_iv * rng.uniform(0.97, 1.12), 4)
    smile = round(rng.uniform(0.0, 3.0), 2)
    return [symbol, name, rng.choice(EXCHANGES), cents(last), cents(change), cents(bid), cents(ask),
            cents(opening), cents(high), cents(low), cents(previous), cents(high52), cents(low52),
            str(volume), cents(dividend), cents(eps), cents(pe), cents(yield_percent), str(shares),
            f"{beta:.2f}", f"{call_iv:.4f}", f"{put_iv:.4f}", f"{smile:.2f}"]


def main():
    rng = random.Random(SEED)
    taken = set()
    print("symbol,company,exchange,last,net_change,bid,ask,open,high,low,previous_close,"
          "high_52_week,low_52_week,volume,dividend,eps,pe,yield_percent,shares_thousands,"
          "volatility,call_iv,put_iv,smile", end="\r\n")
    rows = [row(rng, make_symbol(rng, taken)) for _ in range(COUNT)]
    for fields in sorted(rows):
        print(",".join(fields), end="\r\n")


if __name__ == "__main__":
    main()
