"""Writes Windows-1251 texts of about the given sizes: Cyrillic lines of 60-80 characters, CR LF.

    python3 fixtures.py OUT_DIR name=bytes...
"""
import os
import random
import sys

WORDS = ("оператор строка программа число переменная цикл условие ветвление файл вывод ввод "
         "окружность линия точка цвет экран массив значение выражение функция запись чтение "
         "Бейсик язык команда метка переход конец начало шаг индекс текст символ").split()


def text(size, seed):
    rnd = random.Random(seed)
    out = bytearray()
    while len(out) < size:
        length = rnd.randint(60, 80)
        line = ""
        while len(line) < length:
            line += (" " if line else "") + rnd.choice(WORDS)
        line = line[:length]
        if line[-1] == " " or rnd.random() < 0.2:
            line = line[:-1] + "."
        out += line.encode("cp1251") + b"\r\n"
    return bytes(out)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for arg in sys.argv[2:]:
        name, size = arg.split("=")
        path = os.path.join(folder, name + ".txt")
        if os.path.exists(path) and abs(os.path.getsize(path) - int(size)) < 200:
            continue
        with open(path + ".tmp", "wb") as f:
            f.write(text(int(size), name))
        os.replace(path + ".tmp", path)


main()
