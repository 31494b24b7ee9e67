x = [0.0] * 1000000
for i in range(1000000):
    x[i] = x[i] + 1
print("%d %d" % (x[0], x[999999]))
