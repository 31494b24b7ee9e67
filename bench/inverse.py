import numpy as np
rng = np.random.default_rng(1)
a = (rng.random((200, 200)) - 0.5) * 0.2 + np.eye(200)
x = np.linalg.inv(a)
d = np.linalg.det(a)
print("%.6f %.6e" % (np.trace(x), d))
