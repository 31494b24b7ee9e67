s = ""
for i in range(100000):
    s = s + "%d," % (i % 1000)
print(1 if s else 0)
