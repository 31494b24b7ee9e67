import numpy as np
rng = np.random.default_rng(1)
a = rng.random((1000, 1000))
b = np.sin(a) * 2 + np.sqrt(a) - np.exp(a * 0.5)
c = np.abs(b) + np.floor(a * 10)
print("%.6f" % np.trace(c))
