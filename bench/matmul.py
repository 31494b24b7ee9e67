import numpy as np
rng = np.random.default_rng(1)
a = rng.random((300, 300))
b = rng.random((300, 300))
c = a @ b
print("%.6f" % np.trace(c))
