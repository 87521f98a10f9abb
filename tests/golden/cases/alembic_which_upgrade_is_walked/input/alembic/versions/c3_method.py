from alembic import op


class M:
    def upgrade(self):
        op.drop_table("c")
