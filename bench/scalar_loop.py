s = 0.0
for i in range(2000000):
    s = s + i * 0.5 - (i % 7)
print("%.1f" % s)
