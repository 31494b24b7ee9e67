# Inside a function, where Python can append to a string in place.
def build():
    s = ""
    for i in range(100000):
        s = s + "0123456789"
    return s
print(1 if build() else 0)
