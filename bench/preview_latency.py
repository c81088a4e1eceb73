#!/usr/bin/env python3
"""The preview's latency: from the save of a description file to the new
drawing sent to an open page.

Starts `scenariogen preview LINE TRAIN --port 0`, holds its event stream open
as a page does, and saves the line file again and again (the same bytes, so
that every compilation does the same work). Each time is taken from the
moment before the save to the moment the whole new state has arrived on the
stream.

    preview_latency.py PROGRAM LINE TRAIN [--name N --train T] [--saves K]
"""
import argparse
import socket
import statistics
import subprocess
import sys
import time


def read_event(stream, buffer):
    """Reads the next whole `state` event; returns (its generation, rest of buffer)."""
    while b"\n\n" not in buffer:
        chunk = stream.recv(1 << 20)
        if not chunk:
            raise RuntimeError("the server closed the event stream")
        buffer += chunk
    event, _, rest = buffer.partition(b"\n\n")
    # Chunked transfer framing sits between events: "<size>\r\n" lines.
    for line in event.split(b"\n"):
        if line.startswith(b"data: "):
            marker = b'"generation":'
            start = line.index(marker) + len(marker)
            end = start
            while line[end:end + 1].isdigit():
                end += 1
            return int(line[start:end]), rest
    return None, rest


def next_state(stream, buffer):
    while True:
        generation, buffer = read_event(stream, buffer)
        if generation is not None:
            return generation, buffer


def measure(program, line, train, extra, saves):
    server = subprocess.Popen([program, "preview", line, train, "--port", "0", *extra],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        address = server.stdout.readline().strip()
        port = int(address.rsplit(":", 1)[1].rstrip("/"))
        stream = socket.create_connection(("127.0.0.1", port), timeout=30)
        stream.sendall(f"GET /events HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode())
        generation, buffer = next_state(stream, b"")
        text = open(line, "rb").read()
        times = []
        for _ in range(saves):
            time.sleep(0.15)  # apart from the last save by more than the server's settle time
            start = time.perf_counter()
            with open(line, "wb") as out:
                out.write(text)
            arrived, buffer = next_state(stream, buffer)
            while arrived <= generation:
                arrived, buffer = next_state(stream, buffer)
            times.append((time.perf_counter() - start) * 1000)
            generation = arrived
        stream.close()
        return times
    finally:
        server.terminate()
        server.wait(timeout=10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("line")
    parser.add_argument("train")
    parser.add_argument("--label", default="")
    parser.add_argument("--budget", type=float, default=0)
    parser.add_argument("--saves", type=int, default=20)
    parser.add_argument("--name")
    parser.add_argument("--train-number")
    args = parser.parse_args()
    extra = []
    if args.name:
        extra += ["--name", args.name]
    if args.train_number:
        extra += ["--train", args.train_number]
    times = measure(args.program, args.line, args.train, extra, args.saves)
    median = statistics.median(times)
    worst = max(times)
    verdict = ""
    if args.budget:
        verdict = f"   budget {args.budget:.0f} ms: {'met' if worst <= args.budget else 'NOT met'}"
    print(f"{args.label:24s} median {median:6.1f} ms   max {worst:6.1f} ms   ({len(times)} saves){verdict}")


if __name__ == "__main__":
    sys.exit(main())
