s = "";
for i = 0:99999
  s = [s, sprintf("%d,", mod(i, 1000))];
end
printf("%d\n", numel(s) > 0);
